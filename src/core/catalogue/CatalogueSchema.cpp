#include "core/catalogue/CatalogueSchema.h"
