#include <cstdio>

int main() {
    std::fputs("Varnel V1.0: the password generator's window is not built yet; there is nothing to show.\n",
               stderr);
    return 1;
}
