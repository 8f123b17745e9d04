// Every two-dimensional, stacked and postal encoder of the system.
#pragma once

#include "record.h"
#include "reed_solomon.h"
#include "gs1_verify.h"
#include "binary112.h"
#include "databar.h"
