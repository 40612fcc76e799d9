// The launcher program: connects the subsystems and holds the one
// top-level handler.
int main() { return 0; }
