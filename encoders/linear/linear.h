// Every linear encoder of the system.
#pragma once

#include "code39.h"
#include "frame.h"
