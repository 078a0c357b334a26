#include "profile/ActionList.h"
