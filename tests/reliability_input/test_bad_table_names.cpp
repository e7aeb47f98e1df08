#include "BadInputFixture.h"
