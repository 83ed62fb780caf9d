// A bottom-layer header that reaches up into the form: the check must fail on it.
#pragma once

#include "form/Minsert.h"
