// Every linear encoder of the system.
#pragma once

#include "code39.h"
#include "frame.h"
#include "upc_ean.h"
#include "code128.h"
#include "gs1_128.h"
#include "code11_25.h"
#include "msi_codabar.h"
#include "telepen.h"
#include "postal.h"
#include "semi.h"
