#include "Mapper_U.h"
