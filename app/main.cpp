#include "app/application.h"

int main(int argc, char** argv) { return app::LanceGravelune(argc, argv); }
