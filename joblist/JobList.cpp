// The job list model, its list file and the job list window.
