// placeholder replaced by the settings model
