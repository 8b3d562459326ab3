#include "catalogs/elementscatalog.h"
