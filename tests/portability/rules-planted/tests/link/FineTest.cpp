// Within the size, and a test may store a setting.
void Store() { WriteSetting("com", "COM2"); }
