#include "UlmoDPRelacionarPlanoPlEspec_U.h"
