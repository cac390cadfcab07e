#include <cstdio>

int main() {
  std::fputs("zarvo-batch: nog niet gebouwd\n", stderr);
  return 2;
}
