#pragma once

#include <string>

#include "records/deal_table.h"

// Maps the deals' table file at `path` (deals.tkd beside the executable)
// read-only and parses it in place, or reads it into memory where the system
// does not map it; the table (`mapped` says which), or the one reason it was
// refused, with the system's message when the file could not be read. A
// mapped file is kept open for reading only, and others can read it but not
// change it, until the table and its copies are gone.
DealTableLoad loadDealTableFile(const std::string& path);
