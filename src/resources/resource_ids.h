#pragma once
// Resource ids of the setup program, shared by the resource script and the code.
#define IDI_PROGRAM 1
