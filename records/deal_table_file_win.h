#pragma once

#include <string>

#include "records/deal_table.h"

// Reads the deals' table file at `path` (deals.tkd beside the executable) and
// parses it; the table, or the one reason it was refused, with the system's
// message when the file could not be read.
DealTableLoad loadDealTableFile(const std::string& path);
