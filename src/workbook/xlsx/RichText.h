#pragma once

#include "workbook/xlsx/XmlReader.h"

#include <QString>

#include <string>

namespace setzaiko::xlsx {

// Gathers the text of one string item (a shared string <si> or an inline string <is>): its
// plain text or the text of its runs joined, without the phonetic runs. Each <t> loses its
// leading and trailing white space unless xml:space="preserve" holds for it; the _xHHHH_
// escapes are decoded at the end.
class RichText
{
public:
    // At the item's start element.
    void begin(const char** attributes);
    // Elements and text inside the item (not the item's own end).
    void startElement(const XmlName& name, const char** attributes);
    void endElement(const XmlName& name);
    void characters(std::string_view text)
    {
        if (m_capturing) {
            m_run.append(text);
        }
    }
    // For an item of one <t> and its text: what begin, the <t> (with xml:space="preserve" or
    // without) and its text give.
    void takeText(std::string_view text, bool preserves);
    // At the item's end element.
    QString finish();
    // The same with the escapes left in, for decodeEscapes later; valid until begin.
    std::string_view undecoded() const { return m_text; }

private:
    int m_depth = 0;
    bool m_inRun = false;
    bool m_capturing = false;
    bool m_itemPreserves = false;
    bool m_runPreserves = false;
    bool m_textPreserves = false;
    std::string m_run;
    std::string m_text;
};

// UTF-8 bytes as text, every character kept: a U+FEFF at the start of a cell's text or a
// sheet's name is a character of it, though QString::fromUtf8 drops it as a byte order mark.
QString textFromUtf8(std::string_view utf8);

// The text of UTF-8 bytes at its exact size: Qt reserves a unit for every byte, three times
// what Japanese text needs, and a table holds hundreds of thousands of such texts.
QString exactText(std::string_view utf8);

// Replaces every _xHHHH_ by the UTF-16 code unit HHHH, left to right, so that _x005F_ stands
// for the underscore itself.
QString decodeEscapes(std::string_view utf8);

} // namespace setzaiko::xlsx
