#pragma once
// Jobs as GoogleTest prints them: long fields shortened to their start and
// length, control bytes escaped, so a failing comparison of 10000-byte
// fields stays readable.
#include "joblist/Job.h"

#include <cstdio>
#include <ostream>

inline std::string describeField(const std::string &field)
{
    std::string out;
    for (char c : field.substr(0, 24)) {
        if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    if (field.size() > 24)
        out += "...(" + std::to_string(field.size()) + " bytes)";
    return '"' + out + '"';
}

inline Job makeJob(const std::string &table, const std::string &csv)
{
    Job job;
    job.table = table;
    job.csv = csv;
    return job;
}

inline void PrintTo(const Job &job, std::ostream *os)
{
    *os << '{' << describeField(job.table) << ", " << describeField(job.csv);
    if (job.selected || !job.status.empty())
        *os << ", status " << describeField(job.status) << (job.selected ? ", selected" : "");
    *os << '}';
}
