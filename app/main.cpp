#include "app/Application.h"

int main(int argc, char* argv[]) {
  return pictavo::app::RunApplication(argc, argv);
}
