#include "platform/berichten.h"
