#pragma once

#include "import/Workbook.h"
#include "master/MasterData.h"
#include "ui/Prompter.h"

#include <functional>
#include <memory>

namespace setzaiko {

// What every window reaches: the two master tables of the run with their lookup, the message-box
// route and the workbook engine, which is made at the first import and kept until the program ends.
class AppContext
{
public:
    using OpenerFactory = std::function<std::unique_ptr<WorkbookOpener>()>;

    AppContext(Prompter& prompter, OpenerFactory makeOpener);

    MasterData& masters() { return m_masters; }
    ProductMaster& products() { return m_masters.products(); }
    StockMaster& stocks() { return m_masters.stocks(); }
    Prompter& prompter() { return m_prompter; }
    WorkbookOpener& workbookOpener();

private:
    MasterData m_masters;
    Prompter& m_prompter;
    OpenerFactory m_makeOpener;
    std::unique_ptr<WorkbookOpener> m_opener;
};

} // namespace setzaiko
