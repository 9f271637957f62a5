#include "core/shell/LanguagePack.h"
