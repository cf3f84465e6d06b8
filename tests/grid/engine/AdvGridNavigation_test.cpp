// Tests of the full string grid's navigation services.
#include <gtest/gtest.h>
