#include "compare/NearMisses.h"
