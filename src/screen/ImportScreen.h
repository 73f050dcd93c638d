#pragma once

#include "import/ImportRun.h"
#include "screen/ScreenBox.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace setzaiko {

// Which of the import window's three buttons can be pressed: 参照, the import button, 戻る.
struct ImportButtons
{
    bool file = true;
    bool ok = false;
    bool exit = true;

    friend bool operator==(const ImportButtons&, const ImportButtons&) = default;
};

// What the import window shows once a press of its import button has been handled, as data:
// the counts, the box due, the message line and the buttons. The window renders it; the
// command line prints it.
struct ImportScreen
{
    // The counts the labels show at the end; nullopt leaves the labels as they are (emptied
    // by the start of the run, or untouched by a refused press).
    std::optional<ImportCounts> counts;
    std::optional<ScreenBox> box;
    // Set after the box is closed; empty when the press leaves the line as it is.
    QString messageLine;
    // nullopt: a refused press leaves the buttons as they were.
    std::optional<ImportButtons> buttons;
    // A success enables the buttons before its box, so that they are usable the moment the
    // user has read it; every other outcome sets them at the very end.
    bool buttonsBeforeBox = false;

    friend bool operator==(const ImportScreen&, const ImportScreen&) = default;

    // What the run's outcome shows.
    static ImportScreen after(const ImportResult& result);
};

// What the import window shows while a run reads: the labels emptied, every button disabled.
inline constexpr ImportButtons buttonsWhileImporting{false, false, false};

// A count label's text ("###,##0").
QString countText(std::int64_t count);

// The folder the import window hands back when it is left with the inquiry on: the folder of
// the workbook the chooser handed back last. That is the book's folder, worked out once with
// the book, when the chooser's workbook is the one the book was read from; the chooser's own
// directory text otherwise (empty when its directory list was never moved, so that the export
// writes into the process's current directory; that of a workbook chosen but not imported).
QString handedBackFolder(const ImportedBook& book, const QString& chosenPath,
                         const QString& chosenDirectory);

} // namespace setzaiko
