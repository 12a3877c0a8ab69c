#pragma once

#include <QString>
#include <QStringView>
#include <algorithm>
#include <memory>

// A working text of the engine: it keeps its room from one evaluation to the next, so that
// building a formula's texts is copying characters, with no allocation and no call into the
// string library on the way.
class WorkText
{
public:
    qsizetype size() const { return m_size; }
    void clear() { m_size = 0; }
    QStringView view() const { return {m_data.get(), m_size}; }
    operator QStringView() const { return view(); }
    QString toString() const { return view().toString(); }

    // piece must not lie in this text.
    void append(QStringView piece)
    {
        std::copy(piece.utf16(), piece.utf16() + piece.size(), room(piece.size()));
        m_size += piece.size();
    }
    void append(char16_t c)
    {
        *room(1) = c;
        ++m_size;
    }
    void assign(QStringView text)
    {
        clear();
        append(text);
    }
    void insert(qsizetype at, QStringView piece)
    {
        char16_t* end = room(piece.size());
        std::copy_backward(m_data.get() + at, end, end + piece.size());
        std::copy(piece.utf16(), piece.utf16() + piece.size(), m_data.get() + at);
        m_size += piece.size();
    }
    // Room for n more characters after the text; returns where they go. The size is the
    // caller's to change (grow) once they are written.
    char16_t* room(qsizetype n)
    {
        if (m_size + n > m_capacity) {
            reserve(std::max(m_size + n, 2 * m_capacity + 64));
        }
        return m_data.get() + m_size;
    }
    void grow(qsizetype n) { m_size += n; }

private:
    void reserve(qsizetype capacity)
    {
        auto data = std::make_unique_for_overwrite<char16_t[]>(size_t(capacity));
        std::copy(m_data.get(), m_data.get() + m_size, data.get());
        m_data = std::move(data);
        m_capacity = capacity;
    }

    std::unique_ptr<char16_t[]> m_data;
    qsizetype m_size = 0;
    qsizetype m_capacity = 0;
};
