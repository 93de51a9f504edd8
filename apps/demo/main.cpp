// vantrel-demo: a guided look at the components this build produces.
#include <cstdio>

int main() {
    std::printf("Vantrel demo\n");
    std::printf("The component registry is not built yet; nothing can be created by name.\n");
    return 0;
}
