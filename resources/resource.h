#pragma once
// Identifiers shared by the resource script and the code.

#define IDI_VELTRANO 103

// Main menu commands
#define IDM_EXIT 40001
#define IDM_ENCRYPT_KEYWORD_FILE 40005
