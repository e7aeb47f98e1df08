// The embedded engine.
#include "oracle/oci7.h"
