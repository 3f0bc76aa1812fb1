#pragma once
// The record grid's old place, for the operator monkey until its include names the new one.
#include "platform/desktop/RecordGrid.h"
