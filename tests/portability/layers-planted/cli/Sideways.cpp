// Planted: one program reaching into the other.
#include "cli/Session.h"
#include "console/Prompts.h"
