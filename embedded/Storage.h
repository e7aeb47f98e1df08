#pragma once
// How values are kept in the SQLite files, and the checks a value passes on
// its way into a column. See Storage.cpp for the reasons.
#include "DateValue.h"
#include "Number.h"
#include "SqlType.h"

#include <string>
#include <string_view>

namespace kdb::store {

// The largest stored form of a NUMBER.
constexpr int kNumberKeyMax = 24;
constexpr int kDateLength = 19;

// Order-preserving key of a NUMBER; returns its length (no NUL written).
int encodeNumber(const Decimal &value, char *out);
bool decodeNumber(std::string_view key, Decimal *out);
std::string numberKey(const Decimal &value);

// The text form of a stored value of `code`, as a fetch into a text buffer
// shows it: NUMBER in Oracle's default form, DATE as DD-MON-RR, the others
// as stored. `scratch` holds the converted text; the result may point into
// `stored` instead.
std::string_view displayText(int code, std::string_view stored, std::string *scratch);

// Where a value goes, for the messages of its failures.
struct ColumnTarget {
    SqlType type;
    bool nullable = true;
    std::string quotedName; // "SCHEMA"."TABLE"."COLUMN"
};

// Converts text (a bound value, or an expression's text) into the stored
// form of the target column and checks it: 12899 too long, 1722 not a number,
// 1438 too many digits, the date errors, 1465 bad hex. An empty text is NULL
// and `*isNull` is set; the NOT NULL check is the caller's. On success `*out`
// views either the text itself or `*scratch`; no heap allocation once the
// scratch buffer has grown to the column's size.
int storeText(const ColumnTarget &target, std::string_view text, std::string *scratch,
              std::string_view *out, std::string *detail);

// Converts a stored value of type `from` into the stored form of the target.
int storeValue(const ColumnTarget &target, int from, std::string_view stored, std::string *scratch,
               std::string_view *out, std::string *detail);

// The 1400 / 1407 detail for a NULL that the column refuses.
std::string nullDetail(const ColumnTarget &target);

// Text in the session's default date form (DD-MON-RR) into storage.
int dateFromDefaultText(std::string_view text, char out[kDateLength]);

} // namespace kdb::store
