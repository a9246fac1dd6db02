// The wcomp837 command-line host (being built).
int main() { return 0; }
