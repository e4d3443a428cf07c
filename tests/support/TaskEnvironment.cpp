#include "tests/support/TaskEnvironment.h"
