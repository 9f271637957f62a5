#include "core/search/Translations.h"
