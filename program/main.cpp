// Newsbell: the economic calendar with alerts, and its table text file for trading robots.
#include "program/Startup.h"

int main(int argc, char** argv) {
    return newsbell::runNewsbell(argc, argv);
}
