#pragma once

#include <QString>
#include <optional>

// The value stored for one cell: a number for a formula that evaluated, otherwise the text as
// typed (empty for an empty cell). The engine only ever sees a value through its text, so the
// text of a number, and what that text reads back as, are kept beside the number.
class CellValue
{
public:
    CellValue() = default;
    static CellValue fromNumber(double number);
    static CellValue fromText(const QString& text);

    bool isNumber() const { return m_isNumber; }
    bool isEmpty() const { return m_text.isEmpty(); }
    // The number itself; 0 for a text.
    double number() const { return m_number; }
    // The value as text: the shown form of a number, or the text itself.
    const QString& text() const { return m_text; }
    // What text() reads as when a formula takes it as a number (readFormulaNumber: no blanks,
    // a capital "E" only); nothing if it is no number.
    std::optional<double> textAsNumber() const
    {
        return m_readable ? std::optional<double>(m_textNumber) : std::nullopt;
    }

    bool operator==(const CellValue& other) const
    {
        return m_isNumber == other.m_isNumber && m_text == other.m_text &&
               (!m_isNumber || m_number == other.m_number);
    }

private:
    QString m_text;
    double m_number = 0;
    double m_textNumber = 0;
    bool m_isNumber = false;
    bool m_readable = false;
};
