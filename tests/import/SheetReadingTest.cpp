#include "import/SheetReading.h"

#include "support/MemoryWorkbook.h"

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::importrun;
using namespace setzaiko::testing;

namespace {

using Row = std::vector<CellValue>;

Row product(const QString& mark, const QString& code, CellValue quantity = number(1))
{
    Row row(10, text(u"x"_s));
    row[0] = mark.isEmpty() ? empty() : text(mark);
    row[1] = text(code);
    row[8] = std::move(quantity);
    return row;
}

// Hands out its rows as scripted: some after a restart, then a failure at a given row.
class ScriptedTable : public WorkbookTable
{
public:
    struct Step
    {
        Row row;
        bool restartBefore = false;
    };

    ScriptedTable(std::vector<Step> steps, bool asRead, int failAt)
        : m_steps(std::move(steps)), m_asRead(asRead), m_failAt(failAt)
    {}

    bool nextRow(std::vector<CellValue>& cells) override
    {
        if (static_cast<int>(m_next) == m_failAt) {
            throw WorkbookError("damaged after the rows before");
        }
        if (m_next == m_steps.size()) {
            m_restarted = false;
            return false;
        }
        const Step& step = m_steps[m_next++];
        m_restarted = step.restartBefore;
        cells = step.row;
        return true;
    }
    std::shared_ptr<const void> textHolder() const override { return nullptr; }
    bool releasesRowsAsRead() const override { return m_asRead; }
    bool restarted() const override { return m_restarted; }

private:
    std::vector<Step> m_steps;
    bool m_asRead;
    int m_failAt;
    std::size_t m_next = 0;
    bool m_restarted = false;
};

enum class Failure { None, Damage, Quantity };

TEST(SheetReading, TakesBackWhatItsTableTakesBack)
{
    const QString marker = u"○"_s;
    const CellValue beyond = number(1e10);
    struct Case
    {
        const char* name;
        std::vector<ScriptedTable::Step> steps;
        bool asRead;
        int failAt;
        std::vector<QString> codes; // of the table, once read
        std::vector<std::int32_t> rowsAfter;
        Failure failure;
        ImportStatus offence = ImportStatus::Ok;
    };
    const Case cases[] = {
        {"rows taken back leave the table, and the rules start over",
         {{product(marker, u"S1"_s)},
          {product({}, u"S2"_s)},
          {product({}, u"S3"_s), true},
          {product(marker, u"S4"_s)}},
         true,
         -1,
         {u"S4"_s},
         {0, 1},
         Failure::None},
        {"an offence taken back is no offence",
         {{product(marker, u"S1"_s, text(u"x"_s))}, {product(marker, u"S1"_s), true}},
         true,
         -1,
         {u"S1"_s},
         {1},
         Failure::None},
        {"a late failure of rows released as read leaves the table empty",
         {{product(marker, u"S1"_s)}, {product({}, u"S2"_s)}},
         true,
         2,
         {},
         {},
         Failure::Damage},
        {"a failure of rows read whole keeps the rows before it",
         {{product(marker, u"S1"_s)}, {product({}, u"S2"_s)}},
         false,
         2,
         {u"S1"_s, u"S2"_s},
         {1, 2},
         Failure::Damage},
        {"a quantity beyond 32 bits, then damage: the damage is told",
         {{product(marker, u"S1"_s)}, {product({}, u"S2"_s, beyond)}, {product({}, u"S3"_s)}},
         true,
         3,
         {},
         {},
         Failure::Damage},
        {"a quantity beyond 32 bits, then a restart: the rows come again",
         {{product(marker, u"S1"_s)},
          {product({}, u"S2"_s, beyond)},
          {product(marker, u"S1"_s), true},
          {product({}, u"S2"_s)}},
         true,
         -1,
         {u"S1"_s, u"S2"_s},
         {1, 2},
         Failure::None},
        {"a quantity beyond 32 bits where rows are read whole ends the sheet there",
         {{product(marker, u"S1"_s)}, {product({}, u"S2"_s, beyond)}, {product({}, u"S3"_s)}},
         false,
         3,
         {u"S1"_s},
         {1},
         Failure::Quantity},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProductMaster products;
        StockMaster stocks;
        SheetReading reading(TableKind::Product, products, stocks);
        reading.open(std::make_unique<ScriptedTable>(c.steps, c.asRead, c.failAt));
        const std::atomic<bool> stop{false};
        reading.read(stop);
        std::vector<QString> codes;
        for (std::int32_t i = 0; i < products.count(); ++i) {
            codes.push_back(products.row(i).setCode);
        }
        EXPECT_EQ(codes, c.codes);
        EXPECT_EQ(reading.rowsAfterEachRow(), c.rowsAfter);
        EXPECT_EQ(reading.offence(), c.offence);
        Failure failure = Failure::None;
        if (reading.failure()) {
            try {
                std::rethrow_exception(reading.failure());
            } catch (const WorkbookError&) {
                failure = Failure::Damage;
            } catch (const QuantityOutOfRange&) {
                failure = Failure::Quantity;
            }
        }
        EXPECT_EQ(failure, c.failure);
    }
}

} // namespace
