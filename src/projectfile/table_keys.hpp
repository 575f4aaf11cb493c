#pragma once
// The key lists live with the model, where the synchronisation reaches them too.
#include "model/table_keys.hpp"
