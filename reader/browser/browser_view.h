// The encyclopedia screen's view under the name the application core knows it by.
#pragma once

#include "browser.h"
