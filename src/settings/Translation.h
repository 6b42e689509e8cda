#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace quorvane {

// The language file as the translation editor holds it: its lines, and the texts of the standard block
// (block 1) paired with the texts at the same places of the "Other" block (block 3). The three blocks are
// m = (n + 1) / 3 lines apart; line i of block 1 pairs with the line i + 2m rounded, and a partner beyond
// the last line counts as an empty line. Group, section and empty lines are paired but not listed.
class TranslationFile {
public:
    static constexpr int MaxLines = 3001;

    enum class Load {
        Loaded,
        Unreadable, // the file cannot be read
        Invalid,    // too long, not GB18030, or its blocks do not run in parallel
    };

    // Reads and pairs the file, GB18030. A file is taken only when every line of block 1 has its partner
    // in block 3 with the same head (key and "=") or of the same kind (empty, group or section line);
    // otherwise nothing is held and the reason says where the blocks part.
    Load load(const QString& path, QString* reason = nullptr);
    bool isLoaded() const { return m_loaded; }
    QString path() const { return m_path; }

    // The listed rows: the texts of block 1 that are entries, in file order.
    int rowCount() const { return int(m_rows.size()); }
    QString original(int row) const;    // the standard text (the body after the first "=")
    QString translation(int row) const; // the body of its partner in block 3
    // The longest translation the row takes, in characters: twice its standard text; 0 means no limit.
    int translationLimit(int row) const;
    // A line break would add a line and shift every block, and no other control character is read back as
    // written, so each becomes a blank.
    void setTranslation(int row, const QString& text);
    // The file line of a row's translation, counted from 0 (for tests and messages).
    int translationLine(int row) const;

    // The lines as they are written: as read, with each block-3 partner rebuilt from its head and body, and each
    // control character a blank.
    QStringList lines() const;
    // Replaces the file read by load() with lines(), each ended by CR LF, GB18030, atomically; a failure throws
    // text::FileError and leaves the file as it was. Nothing held (no load, or a failed one): nothing is written.
    void save() const;

private:
    struct Pair {
        int line;         // of the partner in block 3; the line count when it lies beyond the last line
        QString head;     // of the partner, up to and including its first "="
        QString body;     // of the partner, after that "="
        QString original; // the body of the block-1 line
    };

    bool m_loaded = false;
    QString m_path;
    QStringList m_lines;
    QList<Pair> m_rows;
};

} // namespace quorvane
