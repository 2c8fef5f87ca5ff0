// Control class extensions (being written).
