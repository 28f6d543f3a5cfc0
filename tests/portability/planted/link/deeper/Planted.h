#pragma once
// A header deeper down is read too.
#include <string>
#include <pthread.h>
