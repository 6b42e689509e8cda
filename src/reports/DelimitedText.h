#pragma once

#include "platform/text/FileWriter.h"
#include "reports/ReportExport.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace quorvane::reports {

// Hands the pieces of a fixed-decimal value text to `put`, so a writer can take them without building a
// text: "0" stays "0"; any other digit text (an empty one included) is padded with "0" on the left to at
// least N + 1 characters and gets the decimal sign before its last N characters, so that with N = 0 the sign
// ends the text; a leading "-" is kept in front of the formatted rest ("-0.05"). N is the price decimals for
// code '1', the weight decimals for code '2'; any other code leaves the text as it stands.
template<typename Put> void formatValuePieces(QStringView s, char code, const ValueFormat& format, const Put& put);

// The one writer of the Tab- or comma-separated text files (report and PLU exports): columns joined by the
// separator byte, every line ended by CR LF, texts in the ANSI code page, nothing quoted. The file replaces
// an old one only when commit() has written it whole. Failures throw ReportError naming the file.
class DelimitedFile {
public:
    DelimitedFile(const QString& path, char separator);

    // Starts the next column of the current line.
    void column()
    {
        if (m_columns++ > 0)
            m_line += m_separator;
    }
    // Appends to the current column: a text in the code page, which must hold it, or bytes as they stand.
    void append(QStringView text);
    void appendBytes(QByteArrayView bytes) { m_line.append(bytes); }
    void endLine();
    void commit();

private:
    [[noreturn]] void fail() const;

    text::FileWriter m_file;
    QString m_name;
    char m_separator;
    QByteArray m_line;
    int m_columns = 0;
};

template<typename Put> void formatValuePieces(QStringView s, char code, const ValueFormat& format, const Put& put)
{
    if ((code != '1' && code != '2') || s == u"0") {
        put(s);
        return;
    }
    if (s.startsWith(u'-')) {
        put(u"-");
        s = s.sliced(1);
        if (s == u"0") {
            put(s);
            return;
        }
    }
    const qsizetype n = qMax(0, code == '1' ? format.pricePoint : format.weightPoint);
    if (s.size() > n) {
        put(s.first(s.size() - n));
        put(format.decimalSign);
        put(s.last(n));
    } else {
        put(u"0");
        put(format.decimalSign);
        for (qsizetype i = s.size(); i < n; ++i)
            put(u"0");
        put(s);
    }
}

} // namespace quorvane::reports
