#include "util/command_states.h"
