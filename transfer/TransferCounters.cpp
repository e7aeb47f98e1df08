#include "transfer/Transfer.h"

int64_t recordCount = 0;
int64_t successCount = 0;
int64_t errorCount = 0;
