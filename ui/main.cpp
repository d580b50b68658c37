#include <cstdio>
int main() {
    std::puts("Tamsor: the window is not built yet.");
    return 0;
}
