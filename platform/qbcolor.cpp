#include "platform/qbcolor.h"
