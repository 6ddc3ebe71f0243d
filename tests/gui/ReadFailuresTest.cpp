#include "GuiSupport.h"

#include <gtest/gtest.h>
