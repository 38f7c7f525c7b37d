// Placeholder until the window layer lands.
