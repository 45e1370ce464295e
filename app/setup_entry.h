#pragma once
// Entry points of the product's own setup, called by the application object for an install
// run ("/INSTALL", or no usable install record) and an uninstall run ("/UNINSTALL").
// The program ends when they return.
void RunInstall();
void RunUninstall(int mode);
