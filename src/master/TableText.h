#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace setzaiko {

// A text field of a master table's row: where the text lies, in the table's own texts or in a
// workbook's texts the table keeps, so that a field takes the room of a pointer (a QString
// takes three) and a text shared by many rows is one text. An empty field points nowhere. A
// field is valid as long as the table that holds its row, or a copy of that table.
class TableText
{
public:
    constexpr TableText() = default;
    explicit TableText(const QString* text) : m_text(text && !text->isEmpty() ? text : nullptr) {}
    // A text known not to be empty, taken without reading it.
    static TableText ofPlain(const QString* text)
    {
        TableText taken;
        taken.m_text = text;
        return taken;
    }

    const QString& text() const { return m_text ? *m_text : emptyText(); }
    operator const QString&() const { return text(); }
    operator QStringView() const { return view(); }
    QStringView view() const { return m_text ? QStringView(*m_text) : QStringView(); }
    bool isEmpty() const { return m_text == nullptr; }

    friend bool operator==(TableText a, TableText b) { return a.view() == b.view(); }
    friend bool operator==(TableText a, QStringView b) { return a.view() == b; }
    friend bool operator==(TableText a, const QString& b) { return a.view() == QStringView(b); }

private:
    static const QString& emptyText()
    {
        static const QString none;
        return none;
    }

    const QString* m_text = nullptr;
};

// The texts a table's fields point to: texts of its own, and the workbook texts it keeps.
class TableTexts
{
public:
    TableTexts() = default;
    // Rows point into the texts where they are: they are shared, never copied.
    TableTexts(const TableTexts&) = delete;
    TableTexts& operator=(const TableTexts&) = delete;

    // Keeps the text: its place never changes while these texts live. A text that shares its
    // characters with one kept lately (a reader hands repeats out so) is that one.
    TableText own(QString text)
    {
        if (text.isEmpty()) {
            return {};
        }
        const std::uint64_t at =
            std::uint64_t{reinterpret_cast<std::uintptr_t>(text.constData())} * 0x9E3779B97F4A7C15u;
        Recent& recent = m_recent[at >> (64 - recentBits)];
        if (recent.text && recent.text->constData() == text.constData() &&
            recent.text->size() == text.size()) {
            return TableText(recent.text);
        }
        recent.text = &m_owned.emplace_back(std::move(text));
        return TableText(recent.text);
    }
    // Keeps what holds texts that fields point to (once for each holder is enough).
    void keep(std::shared_ptr<const void> holder)
    {
        for (const auto& kept : m_kept) {
            if (kept == holder) {
                return;
            }
        }
        m_kept.push_back(std::move(holder));
    }

private:
    // A kept text's characters stay as long as the text, so no other text can have taken
    // their place meanwhile.
    struct Recent
    {
        const QString* text = nullptr;
    };
    static constexpr int recentBits = 6;
    static constexpr std::size_t recentCount = std::size_t{1} << recentBits;

    std::deque<QString> m_owned;
    std::array<Recent, recentCount> m_recent{};
    std::vector<std::shared_ptr<const void>> m_kept;
};

} // namespace setzaiko
