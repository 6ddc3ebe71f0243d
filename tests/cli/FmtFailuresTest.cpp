#include "cli/Tools.h"

#include <gtest/gtest.h>
