#pragma once
// One row of the job list: a table and a CSV file to move between them, and
// what the last run of the pair reported. Every column holds the bytes it was
// given, in the user's 8-bit code page, never converted.
#include <string>

struct Job {
    std::string table;   // TABLE: the table's name as typed
    std::string csv;     // CSV: path of the CSV file
    std::string status;  // STATUS: the last run's message
    std::string record;  // Record: lines or rows handed over, as decimal text
    std::string success; // Success: lines stored or rows written, as decimal text
    std::string error;   // Error: lines rejected, as decimal text
    bool selected = false; // the row's selection mark

    friend bool operator==(const Job &, const Job &) = default;
};
