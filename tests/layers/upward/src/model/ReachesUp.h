#pragma once

// A model header that reaches up into the window: the layer check must refuse it.
#include "app/MainUnit.h"
