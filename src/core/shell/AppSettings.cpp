#include "core/shell/AppSettings.h"
