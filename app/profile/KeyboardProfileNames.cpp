#include "profile/KeyboardProfile.h"
