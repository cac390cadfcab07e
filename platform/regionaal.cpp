#include "platform/regionaal.h"
