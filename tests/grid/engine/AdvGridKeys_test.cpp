// Tests of the full string grid's Enter advance and key presses.
#include <gtest/gtest.h>
