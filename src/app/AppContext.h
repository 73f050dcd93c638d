#pragma once

#include "import/Workbook.h"
#include "master/ProductMaster.h"
#include "master/StockMaster.h"
#include "ui/Prompter.h"

#include <functional>
#include <memory>

namespace setzaiko {

// What every window reaches: the two master tables of the run, the message-box route and the
// workbook engine, which is made at the first import and kept until the program ends.
class AppContext
{
public:
    using OpenerFactory = std::function<std::unique_ptr<WorkbookOpener>()>;

    AppContext(Prompter& prompter, OpenerFactory makeOpener);

    ProductMaster& products() { return m_products; }
    StockMaster& stocks() { return m_stocks; }
    Prompter& prompter() { return m_prompter; }
    WorkbookOpener& workbookOpener();

private:
    ProductMaster m_products;
    StockMaster m_stocks;
    Prompter& m_prompter;
    OpenerFactory m_makeOpener;
    std::unique_ptr<WorkbookOpener> m_opener;
};

} // namespace setzaiko
