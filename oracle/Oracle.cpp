// The session controller, the cursor component and the login dialog.
#include "oracle/oci7.h"
