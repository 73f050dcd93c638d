#pragma once

#include <optional>
#include <string_view>

namespace setzaiko::xlsx {

// The serial number of an ISO 8601 date and time ("2024-04-01", "2024-04-01T12:30:00.5",
// optionally ending in "Z") in the workbook's date system, as a number cell would store it;
// nullopt for anything else.
std::optional<double> serialFromIsoDate(std::string_view text, bool dates1904);

} // namespace setzaiko::xlsx
