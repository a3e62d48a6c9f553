// The query a renderer's model-data reads ask: the model data reader's own unless the option block
// names another (tests answer for a model of their own through it).
#pragma once

#include "core/model/SpcAnswer.h"

typedef SpcReaderFn PFNMODELQUERY;
