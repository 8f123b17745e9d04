// Every linear encoder of the system.
#pragma once

#include "code39.h"
#include "frame.h"
#include "code11_25.h"
#include "msi_codabar.h"
#include "telepen.h"
#include "postal.h"
#include "semi.h"
