// Every two-dimensional, stacked and postal encoder of the system.
#pragma once

#include "record.h"
#include "reed_solomon.h"
#include "gs1_verify.h"
#include "datamatrix.h"
#include "cmdm.h"
#include "aztec.h"
#include "maxicode.h"
#include "pdf417.h"
#include "micropdf417.h"
#include "pharmacode.h"
#include "code16k.h"
#include "intelligent_mail.h"
#include "qrcode.h"
#include "micro_qr.h"
#include "binary112.h"
#include "databar.h"
