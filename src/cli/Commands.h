#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace setzaiko::cli {

// Where a command writes: stdout and stderr, one escaped item a line.
struct Output
{
    QByteArray& out;
    QByteArray& err;
    // Where a process that ends as soon as it has printed keeps what its command read, so
    // that a million rows are not taken apart text by text only for the system to free their
    // pages at once; none: they go when the command returns.
    std::vector<std::shared_ptr<const void>>* keptUntilExit = nullptr;

    static void line(QByteArray& stream, const QString& text);
    // TAB-separated fields on one line.
    static void fields(QByteArray& stream, const QStringList& texts);
    // The cause of a failure, one line of it a line (nothing for an empty cause).
    static void cause(QByteArray& stream, const QString& text);
};

struct ComponentRequest
{
    QString book;
    QString setCode;
    std::optional<QString> order;
    bool limits = false; // a last line names the components that decide the addable sets
    // LblDir of the export; the imported workbook's folder when not given.
    std::optional<QString> directory;
    std::optional<QDateTime> stamp; // the export's time stamp; now when not given
};

// An order of several set products: CODE=QTY items, in the order given.
struct PlanRequest
{
    QString book;
    std::vector<std::pair<QString, QString>> items; // set code, quantity entry
    bool exporting = false;
    std::optional<QString> directory; // --export DIR
    std::optional<QDateTime> stamp;
};

int importCommand(const QString& book, Output& output);
int searchCommand(const QString& book, const QString& code, const QString& name, Output& output);
int componentsCommand(const ComponentRequest& request, bool exporting, Output& output);
int planCommand(const PlanRequest& request, Output& output);

} // namespace setzaiko::cli
