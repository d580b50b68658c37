#include <cstdio>
int main() {
    std::fputs("tamsor-batch: not built yet\n", stderr);
    return 0;
}
