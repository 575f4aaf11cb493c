// Linked with one layer's whole library and the layers below it; never run.
int main() {
  return 0;
}
