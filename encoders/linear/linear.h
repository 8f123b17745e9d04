// Every linear encoder of the system.
#pragma once

#include "code39.h"
#include "frame.h"
#include "upc_ean.h"
#include "code128.h"
#include "gs1_128.h"
