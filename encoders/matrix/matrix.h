// Every two-dimensional, stacked and postal encoder of the system.
#pragma once

#include "record.h"
#include "reed_solomon.h"
#include "gs1_verify.h"
#include "qrcode.h"
#include "micro_qr.h"
