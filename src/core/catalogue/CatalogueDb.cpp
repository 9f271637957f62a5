#include "core/catalogue/CatalogueDb.h"
