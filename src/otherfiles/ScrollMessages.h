#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

namespace quorvane::otherfiles {

// The scroll messages (KVB_3F) and sequences (KVB_40) the scroll-message editor keeps, numbered 1 to 9.
constexpr int ScrollCount = 9;
// A message holds at most this many bytes in the ANSI code page.
constexpr int ScrollMessageBytes = 100;

// The nine messages, number 1 first; a number without a row is empty, a row outside 1 to 9 is not shown.
QStringList loadScrollMessages();
// Replaces every message by the non-empty ones of `messages` (number 1 first), in one transaction: a
// failure keeps the messages as they were. A text the code page cannot hold, or one over 100 bytes, throws.
void saveScrollMessages(const QStringList& messages);
// A message cell's text as it is kept: control characters dropped, so no line of the data file holds one.
QString scrollMessageText(const QString& typed);

// One step of a sequence: the message (0 none, 1 to 9), the pattern (0 to 4) and the speed (0 to 2).
struct ScrollStep {
    int file = 0;
    int pattern = 0;
    int speed = 0;
    bool operator==(const ScrollStep&) const = default;
};
struct ScrollSequence {
    int number = 1;
    std::array<ScrollStep, 3> steps{};
    bool operator==(const ScrollSequence&) const = default;
};
// The sequence of the lowest number 1 to 9; none when there is no such row.
std::optional<ScrollSequence> firstScrollSequence();
// The sequence of `number`, all steps at position 0 without a row; a value outside its list shows 0.
ScrollSequence loadScrollSequence(int number);
// Writes the steps into the row of the sequence's number, added when missing; its other fields stay.
void saveScrollSequence(const ScrollSequence& sequence);

// Marks every message (sequence 0) or the one sequence for sending, runs `transfer`, and clears the marks
// of the table again however the transfer ends; an exception of the transfer goes on after that.
void sendScrollRows(int sequence, const std::function<void()>& transfer);

} // namespace quorvane::otherfiles
