#include "platform/SqliteEngine.h"
