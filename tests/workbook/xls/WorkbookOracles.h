#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <utility>
#include <vector>

namespace setzaiko::testing {

// One cell as an independent reader gives it.
struct OracleCell
{
    enum class Kind { Number, Text, Boolean, Error, Blank, Date, DateTime, Time };
    Kind kind = Kind::Blank;
    double number = 0.0; // Number
    QString text;        // Text, Boolean ("TRUE"/"FALSE"), Error ("#DIV/0!"), Date/Time texts
};

struct OracleSheet
{
    QString name;
    int rows = 0;
    int columns = 0;
    std::map<std::pair<int, int>, OracleCell> cells; // (row, column); no empty cells
};

struct OracleWorkbook
{
    bool readable = false;
    QString failure;
    bool dates1904 = false;
    std::vector<OracleSheet> sheets;
};

// FreeXL: numbers (INT or DOUBLE), texts, date-formatted numbers as date and time texts;
// formula cells come back empty, booleans and error values as integers.
OracleWorkbook readWithFreeXl(const QString& path);

// xlrd, through tests/tools/xlrd_dump.py: every value with its kind, formula cells as their
// cached result, formatted blank cells as Blank.
OracleWorkbook readWithXlrd(const QString& path);

// openpyxl with data_only=True, through tests/tools/openpyxl_dump.py, for .xlsx workbooks: the
// same kinds as xlrd, dates as their serial, cells without a value as Blank.
OracleWorkbook readWithOpenpyxl(const QString& path);

// The calendar date and time of a serial as FreeXL writes it ("YYYY-MM-DD", "HH:MM:SS",
// "YYYY-MM-DD HH:MM:SS"), from the text; false when the text is not one of these.
bool serialFromDateText(const QString& text, bool dates1904, double& serial);

} // namespace setzaiko::testing
