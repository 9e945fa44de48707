#include "app/Application.h"

int main() {
    return zarn::runGame();
}
