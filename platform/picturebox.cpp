#include "platform/picturebox.h"
