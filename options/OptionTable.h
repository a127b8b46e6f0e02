#pragma once

#include "OptionRow.h"

#include <QByteArrayView>

// The encoder options the program knows: 101 rows followed by one all-zero terminating row.
// Constant data, safe to read from any thread.
namespace OptionTable {

// Number of real rows (the terminating row not counted).
constexpr int kRowCount = 101;

// The rows in table order; rows()[kRowCount] is the terminating row.
const OptionRow* rows();

// Number of the rows added after the table's own (for today's encoders).
constexpr int kLaterRowCount = 10;

// The rows added after the table's own, in order; FindOption finds them as well.
const OptionRow* laterRows();

} // namespace OptionTable

// The row whose name equals `name` exactly (case included), else the terminating row,
// whose fields are all zero or absent.
const OptionRow& FindOption(QByteArrayView name);
