// kbt2: the worksheet window.

int main() { return 0; }
