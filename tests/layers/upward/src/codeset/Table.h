#pragma once

// A lower layer reaching up: the layer check must reject it.
#include "viewer/Window.h"
