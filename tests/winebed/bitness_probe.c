/* Says which half of Wine runs it: a program built for each architecture
   must start in the test bed's prefix. */
#include <stdio.h>

int main(void) {
  printf("bitness_probe: %d-bit program started\n", (int)(sizeof(void*) * 8));
  return 0;
}
