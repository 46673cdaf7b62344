#include "model/updater_block.h"
